/* header */
/* board */

#include <stdlib.hch>

#### Error: occam FUNCTION with several results has no Handel-C counterpart (unsupported/several_results.occ:1) ####

macro proc main_ (out)
{
	int 32 q, r;

	#### Error: occam FUNCTION with several results has no Handel-C counterpart (unsupported/several_results.occ:10) ####
	out ! 1;
}

chanout int 32 out with {outfile = "out.dat"};

void main(void)
{
	main_ (out);
}
