/* header */
/* board */

#include <stdlib.hch>

// Items of different types on one channel: Handel-C channels carry one type.
macro proc main_ (out)
{
	#### Error: occam PROTOCOL with items of different types has no Handel-C counterpart (unsupported/mixed_protocol.occ:5) ####
	unsigned 8 t;
	int 32 v;

	par
	{
		#### Error: occam PROTOCOL with items of different types has no Handel-C counterpart (unsupported/mixed_protocol.occ:9) ####
		seq
		{
			#### Error: occam PROTOCOL with items of different types has no Handel-C counterpart (unsupported/mixed_protocol.occ:11) ####
			out ! v;
		}
	}
}

chanout int 32 out with {outfile = "out.dat"};

void main(void)
{
	main_ (out);
}
