/* header */
/* board */

#include <stdlib.hch>

// Dots in names become underscores; the files keep the occam names.
macro proc copy_one (data_in, data_out)
{
	int 32 last_value;

	data_in ? last_value;
	data_out ! last_value;
}

chanin int 32 data_in with {infile = "data.in.dat"};
chanout int 32 data_out with {outfile = "data.out.dat"};

void main(void)
{
	copy_one (data_in, data_out);
}
