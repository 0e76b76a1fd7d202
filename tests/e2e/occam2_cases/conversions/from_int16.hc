/* header */
/* board */

#include <stdlib.hch>

macro proc main_ (in_)
{
	int 16 h;
	int 32 i;
	int 64 w;
	unsigned 8 b;
	unsigned 1 f;

	in_ ? h;
	i = adjs(h, 32);
	w = adjs(h, 64);
	b = (unsigned 8)(h <- 8);
	f = (unsigned 1)(h <- 1);
}

chanin int 16 in_ with {infile = "in.dat"};

void main(void)
{
	main_ (in_);
}
