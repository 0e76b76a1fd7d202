/* header */
/* board */

#include <stdlib.hch>

// A VAL computed from a formal is known only when the procedure runs.
macro proc scaled (n, out)
{
	int 32 m;

	m = n * 2;
	out ! m;
}

macro proc main_ (out)
{
	scaled (4, out);
}

chanout int 32 out with {outfile = "out.dat"};

void main(void)
{
	main_ (out);
}
