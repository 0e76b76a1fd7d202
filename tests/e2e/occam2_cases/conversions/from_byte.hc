/* header */
/* board */

#include <stdlib.hch>

// A BYTE widened to each signed type (zero-extended), and to BOOL.
macro proc main_ (in_)
{
	unsigned 8 b;
	int 32 i;
	int 32 j;
	int 16 h;
	int 64 w;
	unsigned 1 f;

	in_ ? b;
	i = (int 32)adju(b, 32);
	j = (int 32)adju(b, 32);
	h = (int 16)adju(b, 16);
	w = (int 64)adju(b, 64);
	f = (b <- 1);
}

chanin unsigned 8 in_ with {infile = "in.dat"};

void main(void)
{
	main_ (in_);
}
