/* header */
/* board */

#include <stdlib.hch>

// A channel, a value and a variable as formals; the program is called main.
macro proc scale (in_, n, total)
{
	int 32 x;

	in_ ? x;
	total = x * n;
}

macro proc main_ (in_, out)
{
	int 32 t;

	scale (in_, 3, t);
	out ! t;
}

chanin int 32 in_ with {infile = "in.dat"};
chanout int 32 out with {outfile = "out.dat"};

void main(void)
{
	main_ (in_, out);
}
