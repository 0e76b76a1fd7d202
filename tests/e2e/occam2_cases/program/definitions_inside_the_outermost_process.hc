/* header */
/* board */

#include <stdlib.hch>

// A constant and a PROC declared inside the outermost process go to the outermost level.
chan int 32 c;

macro expr k = 3;

macro proc p (v)
{
	c ! v;
}

void main(void)
{
	p (k);
}
