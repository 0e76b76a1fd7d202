/* header */
/* board */

#include <stdlib.hch>

int 32 a[4];
unsigned 8 m[2][3];

void main(void)
{
	a[0] = 7;
	m[1][2] = 'z';
}
