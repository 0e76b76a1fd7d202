prialt
{

c ? x:
skip;

d ? y:
stop;



}  /* prialt */
