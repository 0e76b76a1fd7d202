/* header */
/* board */

#include <stdlib.hch>

// Names that Handel-C keeps for itself, among them the program's channel in.
macro proc p (in_, out)
{
	int 32 int_, chan_, delay_, abs_;

	in_ ? int_;
	chan_ = int_ + 1;
	delay_ = chan_;
	abs_ = delay_;
	out ! abs_;
}

chanin int 32 in_ with {infile = "in.dat"};
chanout int 32 out with {outfile = "out.dat"};

void main(void)
{
	p (in_, out);
}
