/* header */
/* board */

#include <stdlib.hch>

// An included file is translated in place.
// A small library, included by include_found.occ.
macro expr base = 10;

macro proc emit (out, v)
{
	out ! base + v;
}

macro proc main_ (out)
{
	emit (out, 1);
}

chanout int 32 out with {outfile = "out.dat"};

void main(void)
{
	main_ (out);
}
