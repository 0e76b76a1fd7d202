case (b)
{
}
skip;
