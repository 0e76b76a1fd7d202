i = 0;
par
{
{
$$$$$j = 0; j < skip;
}  /* seq */
}  /* par */
i = 1;
par
{
{
$$$$$j = 0; j < skip;
}  /* seq */
}  /* par */
