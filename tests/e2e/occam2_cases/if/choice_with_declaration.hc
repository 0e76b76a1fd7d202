/* header */
/* board */

#include <stdlib.hch>

// A declaration before a choice's process: the choice's block holds it.
macro proc main_ (in_, out)
{
	int 32 x;

	in_ ? x;
	if (x > 0)
	{
		int 32 y;

		y = x * 2;
		out ! y;
	}
	else
	{
		delay;
	}
}

chanin int 32 in_ with {infile = "in.dat"};
chanout int 32 out with {outfile = "out.dat"};

void main(void)
{
	main_ (in_, out);
}
