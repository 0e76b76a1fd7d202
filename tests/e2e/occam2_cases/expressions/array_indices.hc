/* header */
/* board */

#include <stdlib.hch>

// An index is as wide as its array needs: a constant as it is, an INT
// narrowed, a BYTE narrowed or taken whole.
macro proc main_ (in_, out)
{
	int 32 a[4];
	int 32 e[8];
	int 32 big[256];
	int 32 i;
	unsigned 8 b;

	in_ ? i;
	b = 3;
	a[2] = i;
	e[(unsigned 3)(i <- 3)] = 1;
	big[b] = 2;
	out ! a[(b <- 2)] + e[(unsigned 3)(i <- 3)];
}

chanin int 32 in_ with {infile = "in.dat"};
chanout int 32 out with {outfile = "out.dat"};

void main(void)
{
	main_ (in_, out);
}
