/* header */
/* board */

#include <stdlib.hch>

// Beyond three boolean guards the prialts would be too many: a banner.
macro proc main_ (a, b, c, d, out)
{
	unsigned 1 ga, gb, gc, gd;
	int 32 x;

	par
	{
		ga = 1;
		gb = 1;
		gc = 1;
		gd = 1;
	}
	#### Error: occam ALT with more than three boolean guards has no Handel-C counterpart (alt/four_boolean_guards.occ:7) ####
}

chanin int 32 a with {infile = "a.dat"};
chanin int 32 b with {infile = "b.dat"};
chanin int 32 c with {infile = "c.dat"};
chanin int 32 d with {infile = "d.dat"};
chanout int 32 out with {outfile = "out.dat"};

void main(void)
{
	main_ (a, b, c, d, out);
}
