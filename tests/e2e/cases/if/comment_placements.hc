if (a

/*  a holds */

)
{
x = 1

/*  after x */

;

}  /* if */
else if (b)
{
skip;

}  /* if */