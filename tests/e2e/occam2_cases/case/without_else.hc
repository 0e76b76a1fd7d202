/* header */
/* board */

#include <stdlib.hch>

// Without ELSE, a value no option names stops; options named by constants are their values.
macro expr red = 0;
macro expr green = 1;

macro proc main_ (in_, out)
{
	int 32 k;

	in_ ? k;
	switch (k)
	{
		case 0:
			out ! 10;
			break;
		case 1:
			delay;
			break;
		default:
			while (1) delay;
			break;
	}
}

chanin int 32 in_ with {infile = "in.dat"};
chanout int 32 out with {outfile = "out.dat"};

void main(void)
{
	main_ (in_, out);
}
