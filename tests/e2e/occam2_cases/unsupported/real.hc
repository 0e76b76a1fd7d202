/* header */
/* board */

#include <stdlib.hch>

// No floating point in Handel-C: the declaration and each use are banners.
macro proc main_ (out)
{
	#### Error: occam REAL32 and REAL64 (floating point) has no Handel-C counterpart (unsupported/real.occ:3) ####
	#### Error: occam REAL32 and REAL64 (floating point) has no Handel-C counterpart (unsupported/real.occ:5) ####
	out ! 1;
}

chanout int 32 out with {outfile = "out.dat"};

void main(void)
{
	main_ (out);
}
