if (a)
{
x = 
}  /* if */
else if (b)
{
skip;

}  /* if */