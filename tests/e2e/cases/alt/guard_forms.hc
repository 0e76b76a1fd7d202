prialt
{

b $ skip :

stop;

delayt:
skip;

ready $ delayt:

skip;

ready $ c ? ANY:

skip;

}  /* prialt */
