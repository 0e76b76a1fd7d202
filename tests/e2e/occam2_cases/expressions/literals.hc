/* header */
/* board */

#include <stdlib.hch>

// Numbers, hexadecimal numbers and characters, printable or not.
macro proc main_ (out, scr)
{
	out ! 42;
	out ! 0xFF;
	out ! -1;
	scr ! 'a';
	scr ! 10;
	scr ! '*';
	scr ! '\'';
	scr ! '\\';
}

chanout int 32 out with {outfile = "out.dat"};
chanout unsigned 8 scr with {outfile = "scr.dat"};

void main(void)
{
	main_ (out, scr);
}
