/* header */
/* board */

#include <stdlib.hch>

// An INT assigned to a BYTE without a conversion.
macro proc main_ (out)
{
	int 32 i;
	unsigned 8 b;

	i = 300;
	#### Error: the types of this process do not agree (errors/assignment_types_differ.occ:7) ####
	out ! b;
}

chanout unsigned 8 out with {outfile = "out.dat"};

void main(void)
{
	main_ (out);
}
