/* header */
/* board */

#include <stdlib.hch>

// Formals without ? or !: the direction comes from what the program does.
macro proc echo (keyboard, screen)
{
	unsigned 8 ch;

	while (1)
	{
		keyboard ? ch;
		screen ! ch;
	}
}

chanin unsigned 8 keyboard with {infile = "keyboard.dat"};
chanout unsigned 8 screen with {outfile = "screen.dat"};

void main(void)
{
	echo (keyboard, screen);
}
