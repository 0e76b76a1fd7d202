/* header */
/* board */

#include <stdlib.hch>

macro proc main_ (in_)
{
	unsigned 1 f;
	int 32 i;
	int 16 h;
	int 64 w;
	unsigned 8 b;

	in_ ? f;
	i = (int 32)adju(f, 32);
	h = (int 16)adju(f, 16);
	w = (int 64)adju(f, 64);
	b = adju(f, 8);
}

chanin unsigned 1 in_ with {infile = "in.dat"};

void main(void)
{
	main_ (in_);
}
