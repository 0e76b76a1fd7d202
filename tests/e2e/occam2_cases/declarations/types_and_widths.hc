/* header */
/* board */

#include <stdlib.hch>

// Each primitive type's Handel-C type and width.
int 32 i;
int 16 h;
int 32 w;
int 64 d;
unsigned 8 b;
unsigned 1 f;

void main(void)
{
	i = 1;
	h = 2;
	w = 3;
	d = 4;
	b = 5;
	f = 1;
}
