/* header */
/* board */

#include <stdlib.hch>

macro proc main_ (out)
{
	out ! 1;
	// nothing more to send
}

chanout int 32 out with {outfile = "out.dat"};

void main(void)
{
	main_ (out);
}
