/* header */
/* board */

#include <stdlib.hch>

macro proc hello (scr)
{
	#### Error: 'out.string' is not defined (errors/undefined_name.occ:3) ####
	scr ! 'x';
}

chanout unsigned 8 scr with {outfile = "scr.dat"};

void main(void)
{
	hello (scr);
}
