/* header */
/* board */

#include <stdlib.hch>

// Processes at the outermost level after the definitions: main's statements.
macro proc inc (x)
{
	x = x + 1;
}

int 32 v;

void main(void)
{
	v = 1;
	inc (v);
}
