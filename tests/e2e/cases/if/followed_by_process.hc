if (a)
{
x = 1;

}  /* if */y = 2;
