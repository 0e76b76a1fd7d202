/* header */
/* board */

#include <stdlib.hch>

chan int 32 c;
chan unsigned 8 d;
int 32 x;
unsigned 8 b;

void main(void)
{
	par
	{
		c ! 1;
		c ? x;
		d ! 'a';
		d ? b;
	}
}
