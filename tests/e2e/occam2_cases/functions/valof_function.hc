/* header */
/* board */

#include <stdlib.hch>

// A FUNCTION whose VALOF runs a process is a Handel-C function.
inline int 32 clamp (int 32 x)
{
	int 32 r;

	if (x > 100)
	{
		r = 100;
	}
	else
	{
		r = x;
	}
	return r;
}

macro proc main_ (in_, out)
{
	int 32 v;

	in_ ? v;
	out ! clamp (v);
}

chanin int 32 in_ with {infile = "in.dat"};
chanout int 32 out with {outfile = "out.dat"};

void main(void)
{
	main_ (in_, out);
}
