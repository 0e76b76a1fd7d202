/* header */
/* board */

#include <stdlib.hch>

macro expr twice (x) = (x * 2);

macro proc main_ (in_, out)
{
	int 32 v;

	in_ ? v;
	out ! twice (v);
}

chanin int 32 in_ with {infile = "in.dat"};
chanout int 32 out with {outfile = "out.dat"};

void main(void)
{
	main_ (in_, out);
}
