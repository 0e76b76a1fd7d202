/* header */
/* board */

#include <stdlib.hch>

// A VALOF that only computes its result is a macro expression.
macro expr sum3 (a, b, c) = ((a + b) + c);

macro proc main_ (out)
{
	out ! sum3 (1, 2, 3);
}

chanout int 32 out with {outfile = "out.dat"};

void main(void)
{
	main_ (out);
}
