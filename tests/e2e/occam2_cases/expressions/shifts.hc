/* header */
/* board */

#include <stdlib.hch>

// occam's >> brings in zeros: on a signed INT it shifts the unsigned bits.
macro proc main_ (in_, out, scr)
{
	int 32 a;
	unsigned 8 b;

	in_ ? a;
	b = 200;
	out ! a << 3;
	out ! (int 32)(((unsigned 32)a) >> 3);
	scr ! b >> 1;
	scr ! b << 1;
}

chanin int 32 in_ with {infile = "in.dat"};
chanout int 32 out with {outfile = "out.dat"};
chanout unsigned 8 scr with {outfile = "scr.dat"};

void main(void)
{
	main_ (in_, out, scr);
}
