/* header */
/* board */

#include <stdlib.hch>

// An INT narrowed to BYTE, INT16 and BOOL, widened (sign-extended) to INT64.
macro proc main_ (in_)
{
	int 32 i;
	int 32 j;
	unsigned 8 b;
	int 16 h;
	int 64 w;
	unsigned 1 f;

	in_ ? i;
	b = (unsigned 8)(i <- 8);
	h = (i <- 16);
	w = adjs(i, 64);
	f = (unsigned 1)(i <- 1);
	j = i;
}

chanin int 32 in_ with {infile = "in.dat"};

void main(void)
{
	main_ (in_);
}
