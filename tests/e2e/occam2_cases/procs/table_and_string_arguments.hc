/* header */
/* board */

#include <stdlib.hch>

// A string and a table given for array formals become tables of their own.
macro proc send (s, s_size, s_width, out)
{
	{
		int 32 i, i_count;

		i = 0;
		i_count = s_size;
		while (i_count > 0)
		{
			out ! s[(unsigned s_width)(i <- s_width)];
			par
			{
				i = i + 1;
				i_count = i_count - 1;
			}
		}
	}
}

static unsigned 8 table[2] = {'h', 'i'};
static unsigned 8 table_1[2] = {1, 2};

macro proc main_ (scr)
{
	send (table, 2, 1, scr);
	send (table_1, 2, 1, scr);
}

chanout unsigned 8 scr with {outfile = "scr.dat"};

void main(void)
{
	main_ (scr);
}
