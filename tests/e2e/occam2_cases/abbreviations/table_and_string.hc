/* header */
/* board */

#include <stdlib.hch>

static int 32 t[3] = {1, 2, 3};
static unsigned 8 s[2] = {'o', 'k'};

macro proc p (out, scr)
{
	out ! t[2];
	scr ! s[0];
}

chanout int 32 out with {outfile = "out.dat"};
chanout unsigned 8 scr with {outfile = "scr.dat"};

void main(void)
{
	p (out, scr);
}
