par
{
while (b)
{
skip;
stop;

}  /* while */
}  /* par */
