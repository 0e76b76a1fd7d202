/* header */
/* board */

#include <stdlib.hch>

macro proc main_ (out)
{
	#### Error: occam RECORD has no Handel-C counterpart (unsupported/record.occ:7) ####
	#### Error: occam RECORD has no Handel-C counterpart (unsupported/record.occ:9) ####
	out ! 2;
}

chanout int 32 out with {outfile = "out.dat"};

void main(void)
{
	main_ (out);
}
