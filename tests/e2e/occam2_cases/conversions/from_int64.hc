/* header */
/* board */

#include <stdlib.hch>

macro proc main_ (in_)
{
	int 64 w;
	int 32 i;
	int 16 h;
	unsigned 8 b;
	unsigned 1 f;

	in_ ? w;
	i = (w <- 32);
	h = (w <- 16);
	b = (unsigned 8)(w <- 8);
	f = (unsigned 1)(w <- 1);
}

chanin int 64 in_ with {infile = "in.dat"};

void main(void)
{
	main_ (in_);
}
