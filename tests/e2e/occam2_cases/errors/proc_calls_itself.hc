/* header */
/* board */

#include <stdlib.hch>

// occam has no recursion, and hardware no stack.
macro proc countdown (out, n)
{
	if (n > 0)
	{
		out ! n;
		#### Error: a PROC or FUNCTION calls itself (errors/proc_calls_itself.occ:7) ####
	}
	else
	{
		delay;
	}
}

macro proc main_ (out)
{
	countdown (out, 3);
}

chanout int 32 out with {outfile = "out.dat"};

void main(void)
{
	main_ (out);
}
