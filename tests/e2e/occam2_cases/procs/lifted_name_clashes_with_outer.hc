/* header */
/* board */

#include <stdlib.hch>

// A lifted procedure and an outermost one of the same name.
macro proc emit (out)
{
	out ! 1;
}

macro proc outer (out)
{
	emit (out);
}

macro proc emit_1 (out)
{
	out ! 2;
}

macro proc main_ (out)
{
	outer (out);
	emit_1 (out);
}

chanout int 32 out with {outfile = "out.dat"};

void main(void)
{
	main_ (out);
}
