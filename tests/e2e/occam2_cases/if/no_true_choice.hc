/* header */
/* board */

#include <stdlib.hch>

// With no choice TRUE, an IF whose conditions are all false stops.
macro proc main_ (in_, out)
{
	int 32 x;

	in_ ? x;
	if (x > 0)
	{
		out ! 1;
	}
	else if (x < 0)
	{
		out ! -1;
	}
	else
	{
		while (1) delay;
	}
}

chanin int 32 in_ with {infile = "in.dat"};
chanout int 32 out with {outfile = "out.dat"};

void main(void)
{
	main_ (in_, out);
}
