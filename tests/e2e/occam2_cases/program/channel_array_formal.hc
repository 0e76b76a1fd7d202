/* header */
/* board */

#include <stdlib.hch>

// An array of channels as the program's formal: each element on a file of its own.
macro proc adder (in_, out)
{
	int 32 a, b;

	in_[0] ? a;
	in_[1] ? b;
	out ! a + b;
}

chan int 32 in_[2];
chanin int 32 in_0 with {infile = "in.0.dat"};
chanin int 32 in_1 with {infile = "in.1.dat"};
chanout int 32 out with {outfile = "out.dat"};

void main(void)
{
	par
	{
		{
			int 32 value;

			while (1)
			{
				in_0 ? value;
				in_[0] ! value;
			}
		}
		{
			int 32 value;

			while (1)
			{
				in_1 ? value;
				in_[1] ! value;
			}
		}
		adder (in_, out);
	}
}
