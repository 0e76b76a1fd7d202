if (a)
{
if (b)
{
skip;

}  /* if */
}  /* if */
else if (c)
{
stop;

}  /* if */