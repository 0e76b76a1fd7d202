case (sel)
{
0

/*  idle */

:
{
skip;
}

default:
{
stop;
}
}
