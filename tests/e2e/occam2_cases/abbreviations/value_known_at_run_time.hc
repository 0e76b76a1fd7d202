/* header */
/* board */

#include <stdlib.hch>

// A VAL whose value is known only at run time: a variable assigned once.
macro proc p (in_, out)
{
	int 32 t0, t1;

	in_ ? t0;
	in_ ? t1;
	{
		int 32 d;

		d = t1 - t0;
		out ! d;
	}
}

chanin int 32 in_ with {infile = "in.dat"};
chanout int 32 out with {outfile = "out.dat"};

void main(void)
{
	p (in_, out);
}
