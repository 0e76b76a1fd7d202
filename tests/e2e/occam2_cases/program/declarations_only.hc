/* header */
/* board */

#include <stdlib.hch>

int 32 x;

void main(void)
{
	delay;
}
