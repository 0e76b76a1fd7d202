/* header */
/* board */

#include <stdlib.hch>

// Handel-C unrolls a replicated par when it compiles: the count must be constant.
macro proc main_ (in_)
{
	int 32 n;
	int 32 a[8];

	in_ ? n;
	#### Error: occam replicated PAR with a count known only at run time has no Handel-C counterpart (replicators/par_run_time_count.occ:7) ####
}

chanin int 32 in_ with {infile = "in.dat"};

void main(void)
{
	main_ (in_);
}
