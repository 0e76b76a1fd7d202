/* header */
/* board */

#include <stdlib.hch>

// A variant protocol, and the CASE input that reads it.
macro proc server (in_, out)
{
	int 32 v;

	#### Error: occam CASE input has no Handel-C counterpart (unsupported/variant_protocol.occ:10) ####
}

macro proc main_ (out)
{
	out ! 1;
}

chanout int 32 out with {outfile = "out.dat"};

void main(void)
{
	main_ (out);
}
