/* header */
/* board */

#include <stdlib.hch>

macro proc main_ (out)
{
	int 32 x;

	#### Error: 'limit' is not defined (errors/undefined_in_expression.occ:4) ####
	out ! x;
}

chanout int 32 out with {outfile = "out.dat"};

void main(void)
{
	main_ (out);
}
