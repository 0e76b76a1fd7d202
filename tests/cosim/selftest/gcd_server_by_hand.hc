/*
 * The harness's self-test: programs/gcd_server written by hand in the forms the occam 2 mode
 * targets. It must co-simulate equal, and the same with a fault put in must not (test_cosim.py).
 */
set clock = external "P1";

chanin int 32 in_ with {infile = "in.dat"};
chanout int 32 out with {outfile = "out.dat"};
chanout int 32 multiple with {outfile = "multiple.dat"};

inline int 32 gcd (int 32 a, int 32 b)
{
    int 32 x, y;

    par { x = a; y = b; }
    while (y != 0)
    {
        par { x = y; y = x % y; }
    }
    return x;
}

macro expr lcm (a, b, g) = ((a / g) * b);

macro proc gcd_server (input, output, multiples)
{
    int 32 a, b, g;

    while (1)
    {
        input ? a;
        input ? b;
        g = gcd (a, b);
        output ! g;
        if ((a == 0) || (b == 0))
            multiples ! 0;
        else
            multiples ! lcm (a, b, g);
    }
}

void main(void)
{
    gcd_server (in_, out, multiple);
}
