/* header */
/* board */

#include <stdlib.hch>

// A SHARED channel and the CLAIM of its writing end.
macro proc main_ (out)
{
	#### Error: occam SHARED channel has no Handel-C counterpart (unsupported/shared_channel.occ:3) ####
	int 32 x;

	par
	{
		#### Error: occam CLAIM has no Handel-C counterpart (unsupported/shared_channel.occ:6) ####
		seq
		{
			#### Error: occam SHARED channel has no Handel-C counterpart (unsupported/shared_channel.occ:9) ####
			out ! x;
		}
	}
}

chanout int 32 out with {outfile = "out.dat"};

void main(void)
{
	main_ (out);
}
