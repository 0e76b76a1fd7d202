/* header */
/* board */

#include <stdlib.hch>

// A shift count known only at run time.
macro proc main_ (in_, out)
{
	int 32 a, n;

	in_ ? a;
	in_ ? n;
	#### Error: occam shift by a count known only at run time has no Handel-C counterpart (unsupported/shift_by_run_time_count.occ:7) ####
}

chanin int 32 in_ with {infile = "in.dat"};
chanout int 32 out with {outfile = "out.dat"};

void main(void)
{
	main_ (in_, out);
}
