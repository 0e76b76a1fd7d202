prialt
{

c ? x:
skip;

c