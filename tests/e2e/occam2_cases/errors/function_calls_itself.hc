/* header */
/* board */

#include <stdlib.hch>

inline int 32 fact (int 32 n)
{
	int 32 r;

	if (n == 0)
	{
		r = 1;
	}
	else
	{
		#### Error: a PROC or FUNCTION calls itself (errors/function_calls_itself.occ:8) ####
	}
	return r;
}

macro proc main_ (out)
{
	out ! fact (5);
}

chanout int 32 out with {outfile = "out.dat"};

void main(void)
{
	main_ (out);
}
