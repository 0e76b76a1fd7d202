case (b)
{
1:
{
skip;
}
2:
{
skip;
}
default:
{
stop;
}
}
