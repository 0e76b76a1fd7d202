/* header */
/* board */

#include <stdlib.hch>

// A conversion of an expression converts its value; of a constant, is the constant.
macro proc main_ (in_, scr)
{
	int 32 i;
	unsigned 8 b;

	in_ ? i;
	b = (unsigned 8)((i + 1) <- 8);
	i = (int 32)adju(b & 0xF, 32);
	scr ! 65;
	i = 65;
}

chanin int 32 in_ with {infile = "in.dat"};
chanout unsigned 8 scr with {outfile = "scr.dat"};

void main(void)
{
	main_ (in_, scr);
}
