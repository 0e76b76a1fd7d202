/* header */
/* board */

#include <stdlib.hch>

#### Error: cannot find include file "nowhere.inc" (errors/include_not_found.occ:1) ####

macro proc main_ (out)
{
	out ! 1;
}

chanout int 32 out with {outfile = "out.dat"};

void main(void)
{
	main_ (out);
}
