/* header */
/* board */

#include <stdlib.hch>

// An INT and a BYTE added without a conversion.
macro proc main_ (out)
{
	int 32 i;
	unsigned 8 b;

	par
	{
		i = 1;
		b = 2;
	}
	#### Error: the types of this process do not agree (errors/operand_types_differ.occ:7) ####
}

chanout int 32 out with {outfile = "out.dat"};

void main(void)
{
	main_ (out);
}
