/* header */
/* board */

#include <stdlib.hch>

macro proc main_ (in_, out)
{
	unsigned 8 w;

	in_ ? w;
	out ! w;
}

chanin unsigned 8 in_ with {infile = "in.dat"};
chanout unsigned 8 out with {outfile = "out.dat"};

void main(void)
{
	main_ (in_, out);
}
