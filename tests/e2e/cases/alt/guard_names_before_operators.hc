prialt
{

b < 3 $ c ? x:

skip;

b != 0 $ d ? y:

skip;

n >= 2 $ e ? z:

skip;

m >> 1 $ f ? w:

skip;

}  /* prialt */
