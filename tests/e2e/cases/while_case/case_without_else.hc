case (b)
{
1:
{
skip;
}
2:
{
skip;
}3:
{
stop;
}}
