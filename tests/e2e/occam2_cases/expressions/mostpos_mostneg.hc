/* header */
/* board */

#include <stdlib.hch>

macro proc main_ (out, scr)
{
	int 16 h;
	int 64 w;

	out ! 2147483647;
	out ! -2147483648;
	scr ! 255;
	scr ! 0;
	h = -32768;
	w = 9223372036854775807;
}

chanout int 32 out with {outfile = "out.dat"};
chanout unsigned 8 scr with {outfile = "scr.dat"};

void main(void)
{
	main_ (out, scr);
}
