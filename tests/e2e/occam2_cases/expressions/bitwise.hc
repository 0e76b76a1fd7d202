/* header */
/* board */

#include <stdlib.hch>

macro proc main_ (in_, out)
{
	int 32 a, b;

	in_ ? a;
	in_ ? b;
	out ! a & b;
	out ! a | b;
	out ! a ^ b;
	out ! ~a;
	out ! a & b;
	out ! a | b;
	out ! ~a;
}

chanin int 32 in_ with {infile = "in.dat"};
chanout int 32 out with {outfile = "out.dat"};

void main(void)
{
	main_ (in_, out);
}
