/* header */
/* board */

#include <stdlib.hch>

macro proc main_ (out)
{
	int 32 n;

	n = 3;
	while (n > 0)
	{
		out ! n;
		n = n - 1;
	}
}

chanout int 32 out with {outfile = "out.dat"};

void main(void)
{
	main_ (out);
}
