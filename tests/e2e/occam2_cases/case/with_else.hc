/* header */
/* board */

#include <stdlib.hch>

// Several values to one option, and an ELSE.
macro proc main_ (in_, out)
{
	unsigned 8 k;

	in_ ? k;
	switch (k)
	{
		case 'a':
		case 'b':
			out ! 1;
			break;
		case 'c':
			out ! 2;
			break;
		default:
			out ! 0;
			break;
	}
}

chanin unsigned 8 in_ with {infile = "in.dat"};
chanout int 32 out with {outfile = "out.dat"};

void main(void)
{
	main_ (in_, out);
}
