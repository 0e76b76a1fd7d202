/* header */
/* board */

#include <stdlib.hch>

// An open array formal whose SIZE is asked gets a parameter for its size.
macro proc first_and_count (v, v_size, first, n)
{
	first = v[0];
	n = v_size;
}

macro proc main_ (out)
{
	int 32 a[3];
	int 32 f, k;

	a[0] = 7;
	first_and_count (a, 3, f, k);
	out ! f;
	out ! k;
}

chanout int 32 out with {outfile = "out.dat"};

void main(void)
{
	main_ (out);
}
