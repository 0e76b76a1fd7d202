/* header */
/* board */

#include <stdlib.hch>

// AFTER compares times modulo the word: the sign of the difference.
macro proc main_ (in_, out)
{
	int 32 a, b;

	in_ ? a;
	in_ ? b;
	out ! ((int 32)(a - b)) > 0;
}

chanin int 32 in_ with {infile = "in.dat"};
chanout unsigned 1 out with {outfile = "out.dat"};

void main(void)
{
	main_ (in_, out);
}
