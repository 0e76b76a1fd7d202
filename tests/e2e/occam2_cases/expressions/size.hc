/* header */
/* board */

#include <stdlib.hch>

macro proc main_ (out)
{
	int 32 a[5];
	unsigned 8 m[2][3];

	out ! 5;
	out ! 2;
	out ! 3;
}

chanout int 32 out with {outfile = "out.dat"};

void main(void)
{
	main_ (out);
}
