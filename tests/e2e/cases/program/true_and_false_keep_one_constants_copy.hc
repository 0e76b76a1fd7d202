while (TRUE)
{
x = FALSE;

}  /* while */
