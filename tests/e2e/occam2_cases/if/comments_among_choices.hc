/* header */
/* board */

#include <stdlib.hch>

// Comment lines among the choices of an IF and the options of a CASE stay where they stood.
int 32 x, y;

void main(void)
{
	// small
	if (x < 3)
	{
		y = 1;
	}
	// otherwise
	else
	{
		y = 2;
	}
	switch (x)
	{
		// one
		case 1:
			y = 3;
			break;
		default:
			delay;
			break;
	}
}
