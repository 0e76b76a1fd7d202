/* header */
/* board */

#include <stdlib.hch>

macro proc main_ (out)
{
	int 32 a[4], b[4];

	b[0] = 1;
	#### Error: occam assignment of a whole array has no Handel-C counterpart (unsupported/whole_array_assignment.occ:5) ####
	out ! a[0];
}

chanout int 32 out with {outfile = "out.dat"};

void main(void)
{
	main_ (out);
}
