/*
 * Handel-C program produced by vrk, the occam to Handel-C translator.
 * This file is generated: change the occam source and translate it again.
 */

/* One clock drives every statement of the design. */
set clock = external "P1";

/*
 * Board header: harp2.
 * Board-specific declarations (device, pins, external memories) belong here.
 * To target another board, put its own header in msgs/harp2_h.txt.
 */
#define HARP2_DATA_WIDTH 32

#include <stdlib.hch>

// Four lanes of a checksum unit, copies of one replicated PAR whose count
// is a VAL constant. Each lane is a pipeline of three procedures joined by
// channels of its own: a generator of the lane's words, a mixer and an
// accumulator, which leaves the lane's checksum in the lane's own element
// of an array. The checksums then go out on the screen a byte at a time.
macro expr lanes = 4;
macro expr words = 32;
macro expr mixed (w, k) = ((w ^ (w << 3)) + k);

macro proc generator (lane, out)
{
	{
		unsigned 6 i;

		seq (i = 0; i < 32; i++)
		{
			out ! (lane * words) + (int 32)adju(i, 32);
		}
	}
}

macro proc mixer (lane, in_, out)
{
	int 32 w;

	{
		unsigned 6 i;

		seq (i = 0; i < 32; i++)
		{
			in_ ? w;
			out ! mixed (w, lane);
		}
	}
}

macro proc accumulator (lane, in_, sums)
{
	int 32 sum, w;

	sum = 0;
	{
		unsigned 6 i;

		seq (i = 0; i < 32; i++)
		{
			in_ ? w;
			sum = sum ^ w;
		}
	}
	sums[(unsigned 2)(lane <- 2)] = sum;
}

macro proc lane_unit (lane, sums)
{
	chan int 32 words_out, mixed_out;

	par
	{
		generator (lane, words_out);
		mixer (lane, words_out, mixed_out);
		accumulator (lane, mixed_out, sums);
	}
}

// The program: all lanes at once, then the four checksums on the screen,
// low byte first.
macro proc checksums (scr)
{
	int 32 sums[4];

	{
		unsigned 3 i;

		par (i = 0; i < 4; i++)
		{
			lane_unit ((int 32)adju(i, 32), sums);
		}
	}
	{
		unsigned 3 i;

		seq (i = 0; i < 4; i++)
		{
			scr ! (unsigned 8)((sums[(i <- 2)] & 0xFF) <- 8);
			scr ! (unsigned 8)((((int 32)(((unsigned 32)sums[(i <- 2)]) >> 8)) & 0xFF) <- 8);
		}
	}
}

chanout unsigned 8 scr with {outfile = "scr.dat"};

void main(void)
{
	checksums (scr);
}
