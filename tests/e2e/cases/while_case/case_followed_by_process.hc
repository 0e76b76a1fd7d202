case (d)
{
1:
{
x = 0;
}
}
y = 1;
