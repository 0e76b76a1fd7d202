/* header */
/* board */

#include <stdlib.hch>

// Signed comparisons on INT, unsigned on BYTE.
macro proc main_ (in_, keys, out)
{
	int 32 a, b;
	unsigned 8 k;

	in_ ? a;
	in_ ? b;
	keys ? k;
	out ! a == b;
	out ! a != b;
	out ! a < b;
	out ! a > b;
	out ! a <= b;
	out ! a >= b;
	out ! k >= 'a';
}

chanin int 32 in_ with {infile = "in.dat"};
chanin unsigned 8 keys with {infile = "keys.dat"};
chanout unsigned 1 out with {outfile = "out.dat"};

void main(void)
{
	main_ (in_, keys, out);
}
