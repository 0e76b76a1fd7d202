/* header */
/* board */

#include <stdlib.hch>

// A replicated IF of constant bounds, written copy by copy.
macro proc main_ (in_, out)
{
	int 32 t[3];
	int 32 x;

	par
	{
		t[0] = 5;
		t[1] = 7;
		t[2] = 9;
	}
	in_ ? x;
	if (t[0] == x)
	{
		out ! 0;
	}
	else if (t[1] == x)
	{
		out ! 1;
	}
	else if (t[2] == x)
	{
		out ! 2;
	}
	else
	{
		out ! -1;
	}
}

chanin int 32 in_ with {infile = "in.dat"};
chanout int 32 out with {outfile = "out.dat"};

void main(void)
{
	main_ (in_, out);
}
