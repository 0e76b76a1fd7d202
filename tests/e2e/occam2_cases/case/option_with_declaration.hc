/* header */
/* board */

#include <stdlib.hch>

// A declaration before an option's process opens a block inside the case.
macro proc main_ (in_, out)
{
	int 32 k;

	in_ ? k;
	switch (k)
	{
		case 1:
			{
				int 32 y;

				y = k * 2;
				out ! y;
			}
			break;
		default:
			out ! k;
			break;
	}
}

chanin int 32 in_ with {infile = "in.dat"};
chanout int 32 out with {outfile = "out.dat"};

void main(void)
{
	main_ (in_, out);
}
