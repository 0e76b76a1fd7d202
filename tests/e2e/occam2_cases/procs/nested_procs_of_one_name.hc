/* header */
/* board */

#include <stdlib.hch>

// Two nested procedures of one name, each using its outer procedure's channel.
macro proc emit (out)
{
	out ! 1;
}

macro proc first (out)
{
	emit (out);
}

macro proc emit_1 (out)
{
	out ! 2;
}

macro proc second (out)
{
	first (out);
	emit_1 (out);
}

chanout int 32 out with {outfile = "out.dat"};

void main(void)
{
	second (out);
}
