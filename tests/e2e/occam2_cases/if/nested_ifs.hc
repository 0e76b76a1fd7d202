/* header */
/* board */

#include <stdlib.hch>

// An IF as a choice joins the chain; an IF under a condition stays inside it.
macro proc main_ (in_, out)
{
	int 32 x;

	in_ ? x;
	if (x > 10)
	{
		if (x > 20)
		{
			out ! 3;
		}
		else
		{
			out ! 2;
		}
	}
	else if (x > 5)
	{
		out ! 1;
	}
	else if (x > 0)
	{
		out ! 0;
	}
	else
	{
		delay;
	}
}

chanin int 32 in_ with {infile = "in.dat"};
chanout int 32 out with {outfile = "out.dat"};

void main(void)
{
	main_ (in_, out);
}
