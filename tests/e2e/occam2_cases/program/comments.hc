/* header */
/* board */

#include <stdlib.hch>

// A comment before the first definition.
macro expr n = 2;

// The program: doubles what comes in.
macro proc main_ (in_, out)
{
	int 32 x;

	// read it
	in_ ? x;
	// send it doubled
	out ! x * n;
}

chanin int 32 in_ with {infile = "in.dat"};
chanout int 32 out with {outfile = "out.dat"};

void main(void)
{
	main_ (in_, out);
}
