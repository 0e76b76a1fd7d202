/* header */
/* board */

#include <stdlib.hch>

// A nested procedure that uses a variable of the one around it: lifted,
// with that variable as a parameter.
macro proc add (v, total)
{
	total = total + v;
}

macro proc outer (out)
{
	int 32 total;

	total = 0;
	add (2, total);
	add (3, total);
	out ! total;
}

chanout int 32 out with {outfile = "out.dat"};

void main(void)
{
	outer (out);
}
